// Measures a program's start-up as a whole process: the time from exec until
// its first top-level window is exposed on the X server, and its resident
// memory two seconds later. Run it on an X server without a window manager,
// so top-level windows are children of the root window:
//   startup_probe <program> [args...]
// prints "<milliseconds> <resident kB>".
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <signal.h>
#include <sys/wait.h>

namespace {

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
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
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &rootMask);
    xcb_flush(c);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }

    double ms = -1;
    while (ms < 0) {
        xcb_generic_event_t* e = xcb_wait_for_event(c);
        if (!e)
            break;
        const uint8_t type = e->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // Watch every new top-level window for its first exposure.
            auto* create = reinterpret_cast<xcb_create_notify_event_t*>(e);
            const uint32_t mask = XCB_EVENT_MASK_EXPOSURE;
            xcb_change_window_attributes(c, create->window, XCB_CW_EVENT_MASK, &mask);
            xcb_flush(c);
        } else if (type == XCB_EXPOSE) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        }
        std::free(e);
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const long rss = residentKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(c);
    std::printf("%.1f %ld\n", ms, rss);
    return ms < 0 ? 1 : 0;
}
