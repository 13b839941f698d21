#include "app/About.h"

#include "app/Application.h"
#include "platform/Windowing.h"

namespace twinfold
{

TAboutBox::TAboutBox(Application& app)
    : ProductName("Twinfold"), Version("Version 0.1.0"),
      Copyright("Copyright (C) 2024 The Twinfold developers"), m_app(app)
{
}

void TAboutBox::PanelDblClick()
{
    TSpecialBox& special = m_app.SpecialBox;
    special.Line = "Twinfold keeps one directory in step with another.";
    special.ShowModal();
    m_app.services().showModal("TSpecialBox");
}

} // namespace twinfold
