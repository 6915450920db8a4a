// Starts a program and prints, in microseconds, how long it took until a window whose title begins
// with the given text is viewable on the X display. It waits on the X server's map notifications
// instead of polling, so the measuring costs no processor time while the program starts.
//
// usage: bench_mapwatch TITLE PROGRAM [ARGUMENTS...]   (run in the program's working folder)
#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr long long kGiveUpMicroseconds = 30 * 1000000LL;

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> take(T *reply)
{
    return Reply<T>(reply, &std::free);
}

long long nowMicroseconds()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000LL + t.tv_nsec / 1000;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    auto reply = take(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The display and what a window's title is looked up by.
struct Display
{
    explicit Display(xcb_connection_t *connection)
        : c(connection)
        , netWmName(atom(c, "_NET_WM_NAME"))
        , utf8(atom(c, "UTF8_STRING"))
    {
    }

    std::string property(xcb_window_t w, xcb_atom_t name, xcb_atom_t type) const
    {
        auto reply = take(xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, type, 0, 256), nullptr));
        if (!reply)
            return {};
        return std::string(static_cast<const char *>(xcb_get_property_value(reply.get())),
            xcb_get_property_value_length(reply.get()));
    }

    std::string title(xcb_window_t w) const
    {
        const std::string name = property(w, netWmName, utf8);
        return name.empty() ? property(w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY) : name;
    }

    // Whether a viewable window with the title lies at or below the given one, as `xdotool search
    // --onlyvisible` would find it.
    bool viewableWithTitle(xcb_window_t w, const std::string &prefix) const
    {
        auto attributes = take(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            return false;
        if (title(w).rfind(prefix, 0) == 0)
            return true;
        auto tree = take(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr));
        if (!tree)
            return false;
        const xcb_window_t *children = xcb_query_tree_children(tree.get());
        const std::vector<xcb_window_t> list(children, children + xcb_query_tree_children_length(tree.get()));
        return std::any_of(
            list.begin(), list.end(), [&](xcb_window_t child) { return viewableWithTitle(child, prefix); });
    }

    xcb_connection_t *c;
    xcb_atom_t netWmName;
    xcb_atom_t utf8;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string prefix = argv[1];
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "%s: cannot reach the X display\n", argv[0]);
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Display display(c);
    // Map notifications of every top-level window, whether a window manager framed it or not.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    if (display.viewableWithTitle(root, prefix)) {
        std::fprintf(stderr, "%s: a window titled %s is already shown\n", argv[0], argv[1]);
        return 1;
    }

    const long long start = nowMicroseconds();
    const pid_t child = fork();
    if (child == 0) {
        // The program's own messages would mix with the figure printed here.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        close(quiet);
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    // Woken by the display, or every 50 ms to see whether the program ended without a window.
    long long elapsed = -1;
    pollfd readable { xcb_get_file_descriptor(c), POLLIN, 0 };
    while (elapsed < 0 && nowMicroseconds() - start < kGiveUpMicroseconds) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            // The moment the notification arrives counts, not the moment the look below it ends.
            const long long arrived = nowMicroseconds();
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && elapsed < 0) {
                const xcb_window_t mapped = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
                if (display.viewableWithTitle(mapped, prefix))
                    elapsed = arrived - start;
            }
            std::free(event);
        }
        if (elapsed >= 0 || xcb_connection_has_error(c))
            break;
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "%s: %s ended before showing its window\n", argv[0], argv[2]);
            return 1;
        }
        poll(&readable, 1, 50);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(c);
    if (elapsed < 0) {
        std::fprintf(stderr, "%s: no window titled %s from %s\n", argv[0], argv[1], argv[2]);
        return 1;
    }
    std::printf("%lld\n", elapsed);
    return 0;
}
