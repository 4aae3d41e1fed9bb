// Kills a process that keeps saving, a thousand times, and checks that save.dat is always a whole
// save: five equal stage bytes, either the last one the writer reported done or the one it was
// writing when it died; never shorter, never a mix of two saves.
//
//   test_save_kill [ROUNDS]        the test (default 1000 rounds)
//   test_save_kill --writer DIR    the writer: loads DIR/save.dat, then raises every stage by one
//                                  (1..255, round again), saves, and reports the value on stdout
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/global.h"

namespace {

int Next(int v) { return v % 255 + 1; }

int RunWriter(const char* dir) {
    Global& g = Global::Instance();
    g.SetSaveFolder(dir);
    g.LoadSave();
    int value = g.GetStage(0);
    for (;;) {
        value = Next(value);
        for (int i = 0; i < 5; ++i) {
            g.Set(value, "stage_" + std::to_string(i));
        }
        if (!g.WriteSave()) {
            return 3;
        }
        const unsigned char done = static_cast<unsigned char>(value);
        if (write(STDOUT_FILENO, &done, 1) != 1) {
            return 4;
        }
    }
}

// The save's stage value, or -1 with a reason when the file is not a whole save.
int ReadSave(const std::string& path, std::string& why) {
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        why = "save.dat missing";
        return -1;
    }
    unsigned char b[16];
    const ssize_t n = read(fd, b, sizeof(b));
    close(fd);
    if (n != 5) {
        why = "save.dat has " + std::to_string(n) + " bytes";
        return -1;
    }
    for (int i = 1; i < 5; ++i) {
        if (b[i] != b[0]) {
            why = "save.dat mixes two saves";
            return -1;
        }
    }
    return b[0];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--writer") == 0) {
        return RunWriter(argv[2]);
    }
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 1000;
    char dirTemplate[] = "/tmp/tarnwick-savekill-XXXXXX";
    const char* dir = mkdtemp(dirTemplate);
    if (dir == nullptr) {
        std::perror("mkdtemp");
        return 2;
    }
    const std::string path = std::string(dir) + "/save.dat";
    std::mt19937 rng(std::random_device{}());
    const auto start = std::chrono::steady_clock::now();
    int known = 0;  // the save's value before the round (0: no file yet)
    int failures = 0, changed = 0, midWrite = 0;
    for (int round = 0; round < rounds && failures == 0; ++round) {
        int out[2];
        if (pipe(out) != 0) {
            std::perror("pipe");
            return 2;
        }
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execl("/proc/self/exe", argv[0], "--writer", dir, static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        // Anywhere from before the writer's first save to well into its loop.
        usleep(std::uniform_int_distribution<int>(0, 12000)(rng));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        int reported = known;
        unsigned char buf[4096];
        for (ssize_t n; (n = read(out[0], buf, sizeof(buf))) > 0;) {
            reported = buf[n - 1];
        }
        close(out[0]);
        if (!WIFSIGNALED(status)) {
            std::fprintf(stderr, "round %d: the writer ended by itself (status %d)\n", round, status);
            ++failures;
            break;
        }
        std::string why;
        const int now = ReadSave(path, why);
        if (now < 0 && !(known == 0 && reported == 0 && access(path.c_str(), F_OK) != 0)) {
            std::fprintf(stderr, "round %d: %s\n", round, why.c_str());
            ++failures;
            break;
        }
        const int found = now < 0 ? 0 : now;
        // Either the last save reported done, or the next one, written but not yet reported.
        if (found != reported && found != Next(reported)) {
            std::fprintf(stderr, "round %d: save holds %d, expected %d or %d\n", round, found, reported,
                         Next(reported));
            ++failures;
            break;
        }
        changed += found != known;
        midWrite += found != reported;
        known = found;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d rounds in %.1f s: the save changed in %d, a kill landed after the rename in %d\n",
                rounds, seconds, changed, midWrite);
    std::string cleanup = std::string("rm -rf ") + dir;
    (void)std::system(cleanup.c_str());
    // Too few changed saves would mean the kills never met the writer at work.
    if (failures == 0 && changed < rounds / 4) {
        std::fprintf(stderr, "only %d of %d rounds saw a new save\n", changed, rounds);
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
