#pragma once

#include "Signal.h"

#include <string>
#include <utility>

namespace twinfold
{

// What every window model of the program shares: its class name ("TMain", "TSyncBox", ...), by
// which front ends find its view, and whether it is on screen. Show() and Close() announce the
// change, so a modal loop ends when a handler such as OkClick closes its own window.
class Window
{
public:
    explicit Window(std::string name) : m_name(std::move(name)) {}
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window() = default;

    const std::string& name() const { return m_name; }
    bool visible() const { return m_visible; }

    void Show()
    {
        if (m_visible)
            return;
        m_visible = true;
        shown.emit();
    }
    void Close()
    {
        if (!m_visible)
            return;
        m_visible = false;
        closed.emit();
    }

    Signal<> shown;
    Signal<> closed;

private:
    std::string m_name;
    bool m_visible = false;
};

} // namespace twinfold
