// SPDX-License-Identifier: MIT
// Every window of the program on a real X server with a window manager (run by
// with_window_manager.sh; CTest runs it for each screen size and scale factor the offscreen
// screen tests cover): the frame the window manager draws, title bar included, lies inside
// the work area, at the first placement and when a window is shown again. The frame is read
// from the X server itself (_NET_FRAME_EXTENTS around the client window), not from Qt.
#include "ui/main/olympiad_report.hpp"
#include "ui/support/ui_fixture.hpp"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <chrono>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

using namespace kavo::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// A connection of its own to the X server the program runs on: what the server holds, not
// what Qt believes.
class XServer {
  public:
    XServer() : connection_(xcb_connect(nullptr, nullptr)) {}
    ~XServer() { xcb_disconnect(connection_); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool connected() const { return xcb_connection_has_error(connection_) == 0; }
    xcb_window_t root() const {
        return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }

    // The 32-bit values of a property; empty when the window does not have it.
    std::vector<std::uint32_t> cardinals(xcb_window_t window, const char* name) {
        const xcb_atom_t atom = intern(name);
        std::vector<std::uint32_t> values;
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, atom, XCB_ATOM_ANY, 0, 64),
            nullptr);
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
        return values;
    }

    // The client area of a window on the screen, in the server's pixels.
    QRect clientArea(xcb_window_t window) {
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr);
        xcb_translate_coordinates_reply_t* origin = xcb_translate_coordinates_reply(
            connection_, xcb_translate_coordinates(connection_, window, root(), 0, 0), nullptr);
        QRect area;
        if (geometry && origin)
            area = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
        free(geometry);
        free(origin);
        return area;
    }

    // The frame around a client window: the client area grown by _NET_FRAME_EXTENTS (left,
    // right, top, bottom); empty while the window manager has not framed it.
    QRect frame(xcb_window_t window) {
        const auto extents = cardinals(window, "_NET_FRAME_EXTENTS");
        const QRect client = clientArea(window);
        if (extents.size() != 4 || client.isEmpty())
            return {};
        return client.adjusted(-int(extents[0]), -int(extents[2]), int(extents[1]),
                               int(extents[3]));
    }

    // The area windows may take: _NET_WORKAREA of the current desktop, else the screen.
    QRect workArea() {
        const auto area = cardinals(root(), "_NET_WORKAREA");
        const auto current = cardinals(root(), "_NET_CURRENT_DESKTOP");
        const std::size_t at = 4 * (current.empty() ? 0 : current[0]);
        if (area.size() >= at + 4)
            return QRect(int(area[at]), int(area[at + 1]), int(area[at + 2]), int(area[at + 3]));
        return clientArea(root());
    }

    // What the server holds of a window that never showed: its map state (0 unmapped,
    // 1 unviewable, 2 viewable) and whether the window manager has framed it.
    std::string state(xcb_window_t window) {
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr);
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
        xcb_query_tree_reply_t* top =
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root()), nullptr);
        const std::string text =
            "map state " + (attributes ? std::to_string(attributes->map_state) : "?") +
            ", frame extents " + std::to_string(cardinals(window, "_NET_FRAME_EXTENTS").size()) +
            ", parent is root " + (tree ? std::to_string(tree->parent == root()) : "?") +
            ", windows on root " + (top ? std::to_string(top->children_len) : "?") + ", clients " +
            std::to_string(cardinals(root(), "_NET_CLIENT_LIST").size());
        free(attributes);
        free(tree);
        free(top);
        return text;
    }

    bool windowManagerRuns() { return !cardinals(root(), "_NET_SUPPORTING_WM_CHECK").empty(); }

    // True once the window manager frames a window mapped now: it has finished starting and
    // handles new windows (a request made while it starts may be lost, and is made again).
    bool windowManagerFrames() {
        const xcb_window_t probe = xcb_generate_id(connection_);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, probe, root(), 0, 0, 40, 40, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        bool framed = false;
        for (int attempt = 0; attempt < 10 && !framed; ++attempt) {
            xcb_unmap_window(connection_, probe);
            xcb_map_window(connection_, probe);
            xcb_flush(connection_);
            for (int wait = 0; wait < 20 && !framed; ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                framed = cardinals(probe, "_NET_FRAME_EXTENTS").size() == 4;
            }
        }
        xcb_destroy_window(connection_, probe);
        xcb_flush(connection_);
        return framed;
    }

  private:
    xcb_atom_t intern(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, std::uint16_t(strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return atom;
    }

    xcb_connection_t* connection_;
};

struct Frames : UiFixture {
    XServer x;

    // The frame of a shown window once the window manager has framed it and it no longer
    // moves (the program may place it again when the real frame is known).
    QRect settledFrame(QWidget* window) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window, 15000))
            << window->objectName().toStdString() << ": " << x.state(xcb_window_t(window->winId()));
        QRect last;
        int same = 0;
        for (int round = 0; round < 100 && same < 4; ++round) {
            QTest::qWait(25);
            const QRect now = x.frame(xcb_window_t(window->winId()));
            same = !now.isEmpty() && now == last ? same + 1 : 0;
            last = now;
        }
        EXPECT_GE(same, 4) << window->objectName().toStdString() << " never settled";
        return last;
    }

    void expectInside(QWidget* window, const char* when) {
        const QRect frame = settledFrame(window);
        const QRect area = x.workArea();
        EXPECT_TRUE(area.contains(frame))
            << window->objectName().toStdString() << " " << when << ": frame " << frame.x() << ","
            << frame.y() << " " << frame.width() << "x" << frame.height()
            << " outside the work area " << area.x() << "," << area.y() << " " << area.width()
            << "x" << area.height();
    }

    // Hides a window and waits until the window manager has taken it off the screen, as a
    // teacher's next command would find it.
    static void hideWindow(QWidget* window) {
        window->hide();
        EXPECT_TRUE(QTest::qWaitFor([window] { return !window->windowHandle()->isExposed(); }))
            << window->objectName().toStdString();
    }

    QWidget* topLevel(const QString& name) {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == name)
                return widget;
        ADD_FAILURE() << "no window " << name.toStdString();
        return nullptr;
    }
};

TEST_F(Frames, EveryWindowsFrameLiesInsideTheWorkArea) {
    ASSERT_TRUE(x.connected());
    prepare("Rus\r\n");
    ASSERT_TRUE(start());
    expectInside(form1(), "at start");
    // The main window on the whole screen as the window manager shows it, for a look by eye.
    if (const QByteArray shot = qgetenv("KAVO_FRAMES_SCREENSHOT"); !shot.isEmpty())
        QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(shot));

    trigger("Authorisation1");
    expectInside(program->form2(), "first shown");
    hideWindow(program->form2());
    trigger("Authorisation1");
    expectInside(program->form2(), "shown again");
    hideWindow(program->form2());

    trigger("N4");
    expectInside(program->form3(), "first shown");
    hideWindow(program->form3());
    form1()->show();
    expectInside(form1(), "shown again");

    trigger("Overview1");
    QWidget* overview = topLevel(u"Overview"_s);
    ASSERT_NE(overview, nullptr);
    expectInside(overview, "first shown");
    hideWindow(overview);

    form1()->openOlympiadFile(KAVO_EXAMPLE_OLYMPIAD);
    ASSERT_NE(form1()->olympiadReport(), nullptr);
    expectInside(form1()->olympiadReport(), "first shown");

    form1()->olympiadReport()->close();
}

} // namespace

// The windows on the X server of DISPLAY, once its window manager runs.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    {
        XServer x;
        if (!x.connected()) {
            std::fprintf(stderr, "no X server on DISPLAY=%s\n", qgetenv("DISPLAY").constData());
            return 1;
        }
        int waited = 0;
        for (; !x.windowManagerRuns() && waited < 200; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!x.windowManagerRuns() || !x.windowManagerFrames()) {
            std::fprintf(stderr, "no window manager runs on DISPLAY=%s\n",
                         qgetenv("DISPLAY").constData());
            return 1;
        }
    }
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
