#pragma once

#include <string>

namespace twinfold
{

class Application;

// The About box: the program's icon, name and version and an "OK" button. Double-clicking one
// of its panels opens TSpecialBox, a small window with one line of text.
class TAboutBox
{
public:
    explicit TAboutBox(Application& app);

    std::string ProductName;
    std::string Version;
    std::string Copyright;

    void ShowModal() { m_visible = true; }
    void OKButtonClick() { m_visible = false; }
    void PanelDblClick();
    bool visible() const { return m_visible; }

private:
    Application& m_app;
    bool m_visible = false;
};

class TSpecialBox
{
public:
    std::string Line;

    void ShowModal() { m_visible = true; }
    void OKButtonClick() { m_visible = false; }
    bool visible() const { return m_visible; }

private:
    bool m_visible = false;
};

} // namespace twinfold
