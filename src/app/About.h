#pragma once

#include "platform/Window.h"

#include <string>

namespace twinfold
{

class TSpecialBox;
class WindowingServices;

// The About box: the program's icon, name and version and an "OK" button. Double-clicking one
// of its panels opens TSpecialBox, a small window with one line of text.
class TAboutBox : public Window
{
public:
    TAboutBox(WindowingServices& services, TSpecialBox& special);

    std::string ProductName;
    std::string Version;
    std::string Copyright;

    void ShowModal() { Show(); }
    void OKButtonClick() { Close(); }
    void PanelDblClick();

private:
    WindowingServices& m_services;
    TSpecialBox& m_special;
};

class TSpecialBox : public Window
{
public:
    TSpecialBox() : Window("TSpecialBox") {}

    std::string Line;

    void OKButtonClick() { Close(); }
};

} // namespace twinfold
