#include "DialogViews.h"

#include "BindingKit.h"
#include "Bindings.h"

#include "app/Application.h"

#include <QApplication>
#include <QGridLayout>
#include <QVBoxLayout>

namespace twinfold
{

namespace
{

constexpr Qt::WindowFlags FixedFrame =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// The panel, or the line, above its OK button, the box no larger than they need.
void layOut(QDialog* box, QWidget* content, QPushButton* ok)
{
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace

AboutBoxView::AboutBoxView(QWidget* parent)
    : QDialog(parent, FixedFrame), Panel1(new QFrame), ProgramIcon(new QLabel),
      ProductName(new QLabel), Version(new QLabel), Copyright(new QLabel),
      OKButton(new QPushButton(QStringLiteral("OK")))
{
    setWindowTitle(QStringLiteral("About"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    ProductName->setFont(big);
    auto* panel = new QGridLayout(Panel1);
    panel->addWidget(ProgramIcon, 0, 0, 3, 1, Qt::AlignTop);
    panel->addWidget(ProductName, 0, 1);
    panel->addWidget(Version, 1, 1);
    panel->addWidget(Copyright, 2, 1);
    panel->setColumnMinimumWidth(1, 260);
    layOut(this, Panel1, OKButton);
}

SpecialBoxView::SpecialBoxView(QWidget* parent)
    : QDialog(parent, FixedFrame), Line(new QLabel), OKButton(new QPushButton(QStringLiteral("OK")))
{
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    Line->setMinimumWidth(300);
    Line->setAlignment(Qt::AlignCenter);
    layOut(this, Line, OKButton);
}

void bindAboutBox(BindingKit& kit, Application& app, AboutBoxView& about, SpecialBoxView& special)
{
    TAboutBox& box = app.AboutBox;
    TSpecialBox& line = app.SpecialBox;
    // The texts are plain fields of the models, read each time a window is shown.
    auto showTexts = [&box, &about] {
        about.ProductName->setText(qText(box.ProductName));
        about.Version->setText(qText(box.Version));
        about.Copyright->setText(qText(box.Copyright));
    };
    showTexts();
    about.ProgramIcon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    kit.follow(box.shown, showTexts);
    kit.follow(line.shown, [&line, &special] { special.Line->setText(qText(line.Line)); });
    const BindingKit::Handler closeAbout = BindingKit::call(box, &TAboutBox::OKButtonClick);
    kit.press(about.OKButton, closeAbout);
    kit.rejected(&about, closeAbout);
    kit.onEvent(about.Panel1, QEvent::MouseButtonDblClick, [&kit, &box](QEvent*) {
        kit.user(BindingKit::call(box, &TAboutBox::PanelDblClick));
        return true;
    });
    const BindingKit::Handler closeLine = BindingKit::call(line, &TSpecialBox::OKButtonClick);
    kit.press(special.OKButton, closeLine);
    kit.rejected(&special, closeLine);
}

} // namespace twinfold
