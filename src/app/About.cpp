#include "app/About.h"

#include "platform/Windowing.h"

namespace twinfold
{

TAboutBox::TAboutBox(WindowingServices& services, TSpecialBox& special)
    : Window("TAboutBox"), ProductName("Twinfold"), Version("Version 0.1.0"),
      Copyright("Copyright (C) 2024 The Twinfold developers"), m_services(services),
      m_special(special)
{
}

void TAboutBox::PanelDblClick()
{
    m_special.Line = "Twinfold keeps one directory in step with another.";
    m_services.showModal(m_special);
}

} // namespace twinfold
