#include "scenes/menu/title_texts.h"

#include <array>

#include "core/host_names.h"
#include "platform/text_encoding.h"

namespace menu {
namespace {

// Written for the 530 x 130 message window at size 22: at most four lines of about 34
// full-width characters.
constexpr std::array<const char*, kIntroductionLineCount> kIntroduction = {{
    "ようこそ、夜にだけ目を覚ます港町タルンウィックへ。\n"
    "古い時計塔の上、ランタンと月明かりのカードサロン\n"
    "「オストレル」が、今宵あなたをお待ちしておりました。",
    "賭けるのはお金ではなく、メダル。五枚のカードで役をつくり、\n"
    "ホストの小さな魔法には、ゲージを溜めて使える特別な力で応じ、\n"
    "相手のメダルをすべていただけば、あなたの勝ちです。",
    "卓を預かるのは五人のホスト。氷に呪い、鏡写しに魅了、\n"
    "そして館の決まり。メダルをすべて失ったホストは、\n"
    "あなたにひとつ、物語を語るのが館のならわしです。",
    "今夜のお相手は、もうお待ちかねです。\n"
    "緑のフェルトの卓へ、どうぞお掛けください。\n"
    "……よい夜を。",
}};

}  // namespace

const std::string& IntroductionLine(int i) {
    static const std::array<std::string, kIntroductionLineCount> converted = [] {
        std::array<std::string, kIntroductionLineCount> out;
        for (int k = 0; k < kIntroductionLineCount; ++k) {
            const char* line = kIntroduction[static_cast<size_t>(k)];
            out[static_cast<size_t>(k)] = line != nullptr ? platform::Utf8ToSjis(line) : std::string();
        }
        return out;
    }();
    static const std::string empty;
    return i >= 0 && i < kIntroductionLineCount ? converted[static_cast<size_t>(i)] : empty;
}

const std::string& HostName(int h) {
    static const std::array<std::string, hosts::kCount> converted = [] {
        std::array<std::string, hosts::kCount> out;
        for (int k = 0; k < hosts::kCount; ++k) {
            out[static_cast<size_t>(k)] = platform::Utf8ToSjis(hosts::kNamesUtf8[static_cast<size_t>(k)]);
        }
        return out;
    }();
    static const std::string empty;
    return h >= 0 && h < hosts::kCount ? converted[static_cast<size_t>(h)] : empty;
}

}  // namespace menu
