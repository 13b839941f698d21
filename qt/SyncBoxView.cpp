#include "SyncBoxView.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLocale>
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
      Process(new QLabel(QStringLiteral("Processing..."))), FileProgress(new QLabel),
      Gauge(new QProgressBar), Cancel(new QPushButton(QStringLiteral("Cancel")))
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
    auto* status = new QHBoxLayout;
    status->addWidget(Process);
    status->addStretch();
    status->addWidget(FileProgress);
    form->addRow(boldLabel("Status:"), status);
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

QString fileProgressText(qint64 copied, qint64 size)
{
    const QLocale locale;
    if (size <= 0)
        return copied > 0 ? locale.formattedDataSize(copied) : QString();
    return QStringLiteral("%1 of %2 (%3%)")
        .arg(locale.formattedDataSize(copied), locale.formattedDataSize(size))
        .arg(copied * 100 / size);
}

} // namespace twinfold
