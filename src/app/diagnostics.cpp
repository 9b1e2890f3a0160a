#include "app/diagnostics.h"

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

#include "core/text.h"

namespace app {

namespace {
unsigned long long ticks() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}
}  // namespace

std::string cpuSpeedText() {
    // Ask for the highest priority the process may have; without the right to
    // raise it the reading is merely noisier.
    const int oldNice = getpriority(PRIO_PROCESS, 0);
    setpriority(PRIO_PROCESS, 0, -20);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const unsigned long long start = ticks();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const unsigned long long stop = ticks();
    setpriority(PRIO_PROCESS, 0, oldNice);
    char buf[64];
    std::snprintf(buf, sizeof buf, "Your CPU speed: %.2f MHz", static_cast<double>(stop - start) / 500000.0);
    return buf;
}

std::string timeZoneTextFor(long offsetSeconds) {
    return "Your TimeZone: GMT " + std::to_string(offsetSeconds / 3600);
}

std::string timeZoneText() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return timeZoneTextFor(local.tm_gmtoff);
}

std::string connectionKind() {
    bool modem = false, lan = false;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/class/net", ec)) {
        const std::string name = entry.path().filename().string();
        if (name == "lo") continue;
        std::ifstream state(entry.path() / "operstate");
        std::string s;
        state >> s;
        if (s != "up") continue;
        if (core::startsWith(name, "ppp") || core::startsWith(name, "wwan")) modem = true;
        else lan = true;
    }
    if (lan) return "LAN";
    if (modem) return "Modem";
    return {};
}

}  // namespace app
