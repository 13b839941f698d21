#include "SyncBoxView.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace twinfold
{

namespace
{

QLabel* boldLabel(const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

SyncBoxView::SyncBoxView(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      SyncDirFrom(new PathLabel), SyncDirTo(new PathLabel), FileName(new PathLabel),
      Process(new QLabel(QStringLiteral("Processing..."))), Gauge(new QProgressBar),
      Cancel(new QPushButton(QStringLiteral("Cancel")))
{
    setWindowTitle(QStringLiteral("Twinfolding..."));
    setModal(false);
    setCursor(Qt::WaitCursor);
    Gauge->setFormat(QStringLiteral("%p%"));
    Gauge->setValue(0);
    Cancel->setDefault(true);
    Cancel->setCursor(Qt::ArrowCursor);
    auto* form = new QFormLayout;
    form->addRow(boldLabel("From:"), SyncDirFrom);
    form->addRow(boldLabel("To:"), SyncDirTo);
    form->addRow(boldLabel("File:"), FileName);
    form->addRow(boldLabel("Status:"), Process);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(Gauge);
    layout->addWidget(Cancel, 0, Qt::AlignHCenter);
    // A fixed frame: window managers offer neither resizing nor maximising for it. The path
    // labels shorten their texts to the width they get.
    setFixedSize(std::max(380, sizeHint().width()), sizeHint().height());
    Cancel->setFocus();
}

void SyncBoxView::hideEvent(QHideEvent* event)
{
    // It takes the keyboard during a run; when it goes, the keyboard goes back to the window
    // below it, which a bare display (no window manager) would not do by itself.
    if (isActiveWindow() && parentWidget() && parentWidget()->isVisible())
        parentWidget()->window()->activateWindow();
    QDialog::hideEvent(event);
}

} // namespace twinfold
