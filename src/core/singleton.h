#pragma once

// Base of every engine service. Each service exposes a static accessor returning a function-local
// instance, constructed on first use and destroyed at process exit in reverse order.
template <typename T>
class Singleton {
public:
    virtual ~Singleton() = default;
    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    static T& Instance() {
        static T instance;
        return instance;
    }

protected:
    Singleton() = default;
};
