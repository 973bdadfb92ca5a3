// Measures a program's start-up as a whole process: the time from exec until
// its first top-level window is mapped on the X server, the processor time
// it had used by then, and its resident memory two seconds later. Run it on
// an X server without a window manager, where top-level windows are children
// of the root window and the server exposes each as it maps it:
//   startup_probe <program> [args...]
// prints "<milliseconds> <resident kB> <processor milliseconds>".
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A program that shows nothing for this long has failed to start.
constexpr auto kPatience = std::chrono::seconds(60);

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Processor time of all the process's threads so far, from the scheduler's
// nanosecond counts: unlike the wall time, it hardly moves when other work
// shares the machine.
double processorMs(pid_t pid)
{
    double ns = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu)
            ns += onCpu;
    }
    return ns / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_probe <program> [args...]\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot connect to the X server\n");
        return 1;
    }
    // Asked of the root window before the program starts, so no map can come
    // before the probe listens.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t asked = xcb_change_window_attributes_checked(c, screen->root, XCB_CW_EVENT_MASK, &rootMask);
    if (xcb_generic_error_t* error = xcb_request_check(c, asked)) {
        std::free(error);
        std::fprintf(stderr, "cannot watch the root window\n");
        return 1;
    }

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }

    double ms = -1;
    double cpuMs = -1;
    pollfd server{xcb_get_file_descriptor(c), POLLIN, 0};
    while (ms < 0 && Clock::now() - start < kPatience && !xcb_connection_has_error(c)) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (!e) {
            poll(&server, 1, 100);
            continue;
        }
        if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY
            && reinterpret_cast<xcb_map_notify_event_t*>(e)->event == screen->root) {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            cpuMs = processorMs(pid);
        }
        std::free(e);
    }
    if (ms >= 0)
        std::this_thread::sleep_for(std::chrono::seconds(2));
    const long rss = residentKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(c);
    if (ms < 0) {
        std::fprintf(stderr, "%s showed no window\n", argv[1]);
        return 1;
    }
    std::printf("%.1f %ld %.1f\n", ms, rss, cpuMs);
    return 0;
}
