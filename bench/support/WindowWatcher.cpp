#include "support/WindowWatcher.h"

#include "support/ProcessProbe.h"

#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <xcb/xcb.h>

WindowWatcher::WindowWatcher(const QString& display) {
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    m_pConnection = connection;
    m_Root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    m_PidAtom = Atom("_NET_WM_PID");
    m_NameAtom = Atom("_NET_WM_NAME");
    m_Utf8Atom = Atom("UTF8_STRING");
    // New top-level windows show up here; each is then watched on its own.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, m_Root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
}

WindowWatcher::~WindowWatcher() {
    if (m_pConnection != nullptr)
        xcb_disconnect(m_pConnection);
}

uint32_t WindowWatcher::Atom(const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        m_pConnection,
        xcb_intern_atom(m_pConnection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const uint32_t atom = reply != nullptr ? reply->atom : 0;
    std::free(reply);
    return atom;
}

std::optional<WindowWatcher::Event> WindowWatcher::WaitFor(const Condition& condition,
                                                           int timeoutMs,
                                                           const std::function<void()>& onPoll,
                                                           int pollMs) {
    if (m_pConnection == nullptr)
        return std::nullopt;
    const double until = ProcessProbe::NowMs() + timeoutMs;
    while (ProcessProbe::NowMs() < until) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_pConnection)) {
            std::optional<Event> change = Translate(event);
            std::free(event);
            if (change && condition(*change))
                return change;
        }
        if (onPoll)
            onPoll();
        pollfd connection{xcb_get_file_descriptor(m_pConnection), POLLIN, 0};
        poll(&connection, 1, pollMs);
    }
    return std::nullopt;
}

WindowWatcher::Condition WindowWatcher::Is(Change change, pid_t pid, const QString& name) {
    return [=](const Event& event) {
        return event.change == change && event.pid == pid && event.name == name;
    };
}

std::optional<WindowWatcher::Event> WindowWatcher::Translate(void* generic) {
    const double now = ProcessProbe::NowMs();
    const auto* event = static_cast<xcb_generic_event_t*>(generic);
    uint32_t window = 0;
    Change change = Change::Mapped;
    switch (event->response_type & 0x7f) {
    case XCB_CREATE_NOTIFY: {
        std::optional<Event> alreadyMapped;
        Watch(reinterpret_cast<const xcb_create_notify_event_t*>(event)->window, alreadyMapped);
        return alreadyMapped;
    }
    case XCB_MAP_NOTIFY: {
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
        // Each change arrives once for the window itself; a child of the root also arrives
        // through the root, and that copy is left out.
        if (map->event != map->window)
            return std::nullopt;
        window = map->window;
        break;
    }
    case XCB_UNMAP_NOTIFY: {
        const auto* unmap = reinterpret_cast<const xcb_unmap_notify_event_t*>(event);
        if (unmap->event != unmap->window)
            return std::nullopt;
        window = unmap->window;
        change = Change::Unmapped;
        break;
    }
    case XCB_DESTROY_NOTIFY:
        m_Pids.erase(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window);
        return std::nullopt;
    default:
        return std::nullopt;
    }
    return Event{now, change, window, PidOf(window), NameOf(window)};
}

void WindowWatcher::Watch(uint32_t window, std::optional<Event>& alreadyMapped) {
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_pConnection, window, XCB_CW_EVENT_MASK, &mask);
    // A window mapped before the request above took effect sends no event: take it as mapped
    // now, which can only make the figure later than the truth.
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        m_pConnection, xcb_get_window_attributes(m_pConnection, window), nullptr);
    if (attributes != nullptr && attributes->map_state != XCB_MAP_STATE_UNMAPPED)
        alreadyMapped =
            Event{ProcessProbe::NowMs(), Change::Mapped, window, PidOf(window), NameOf(window)};
    std::free(attributes);
}

pid_t WindowWatcher::PidOf(uint32_t window) {
    if (const auto known = m_Pids.find(window); known != m_Pids.end() && known->second != 0)
        return known->second;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        m_pConnection,
        xcb_get_property(m_pConnection, 0, window, m_PidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    pid_t pid = 0;
    if (reply != nullptr && xcb_get_property_value_length(reply) == 4)
        pid = static_cast<pid_t>(*static_cast<const uint32_t*>(xcb_get_property_value(reply)));
    std::free(reply);
    m_Pids[window] = pid;
    return pid;
}

QString WindowWatcher::NameOf(uint32_t window) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        m_pConnection, xcb_get_property(m_pConnection, 0, window, m_NameAtom, m_Utf8Atom, 0, 256),
        nullptr);
    QString name;
    if (reply != nullptr)
        name = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply)),
                                 xcb_get_property_value_length(reply));
    std::free(reply);
    return name;
}
