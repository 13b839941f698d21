#include "AboutBoxView.h"
#include "BindingKit.h"
#include "Bindings.h"
#include "SpecialBoxView.h"

#include "app/Application.h"

#include <QApplication>

namespace twinfold
{

void bindAboutBox(BindingKit& kit, Application& app, AboutBoxView& about, SpecialBoxView& special)
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
    about.ProgramIcon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    kit.follow(box.shown, showTexts);
    kit.follow(line.shown,
               [&line, &special] { special.Line->setText(QString::fromStdString(line.Line)); });
    const BindingKit::Handler closeAbout = BindingKit::call(box, &TAboutBox::OKButtonClick);
    kit.press(about.OKButton, closeAbout);
    kit.rejected(&about, closeAbout);
    QObject::connect(about.Panel1, &AboutPanel::doubleClicked, &kit,
                     [&kit, &box] { kit.user(BindingKit::call(box, &TAboutBox::PanelDblClick)); });
    const BindingKit::Handler closeLine = BindingKit::call(line, &TSpecialBox::OKButtonClick);
    kit.press(special.OKButton, closeLine);
    kit.rejected(&special, closeLine);
}

} // namespace twinfold
