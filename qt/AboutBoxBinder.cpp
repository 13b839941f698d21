#include "AboutBoxBinder.h"

#include "AboutBoxView.h"
#include "SpecialBoxView.h"

#include "app/Application.h"

namespace twinfold
{

AboutBoxBinder::AboutBoxBinder(Application& app, AboutBoxView& about, SpecialBoxView& special)
    : QObject(&about), m_app(app)
{
    TAboutBox& box = app.AboutBox;
    TSpecialBox& line = app.SpecialBox;
    // The texts are plain fields of the models, read each time a window is shown.
    auto showTexts = [&box, &about] {
        about.ProductName->setText(QString::fromStdString(box.ProductName));
        about.Version->setText(QString::fromStdString(box.Version));
        about.Copyright->setText(QString::fromStdString(box.Copyright));
    };
    showTexts();
    m_connections.push_back(box.shown.connect(showTexts));
    m_connections.push_back(line.shown.connect(
        [&line, &special] { special.Line->setText(QString::fromStdString(line.Line)); }));

    connect(about.OKButton, &QPushButton::clicked, this,
            [this, &box] { m_app.command([&box] { box.OKButtonClick(); }); });
    connect(&about, &QDialog::rejected, this,
            [this, &box] { m_app.command([&box] { box.OKButtonClick(); }); });
    connect(about.Panel1, &AboutPanel::doubleClicked, this,
            [this, &box] { m_app.command([&box] { box.PanelDblClick(); }); });
    connect(special.OKButton, &QPushButton::clicked, this,
            [this, &line] { m_app.command([&line] { line.OKButtonClick(); }); });
    connect(&special, &QDialog::rejected, this,
            [this, &line] { m_app.command([&line] { line.OKButtonClick(); }); });
}

} // namespace twinfold
