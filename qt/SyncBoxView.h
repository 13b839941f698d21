#pragma once

#include "PathLabel.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace twinfold
{

// The progress window "Twinfolding...": on top, not modal, Cancel focused and pressed by
// Escape (QDialog's Escape goes to reject(), which the binding turns into Cancel).
class SyncBoxView : public QDialog
{
public:
    explicit SyncBoxView(QWidget* parent = nullptr);

    PathLabel* SyncDirFrom;
    PathLabel* SyncDirTo;
    PathLabel* FileName;
    QLabel* Process;
    // How far the copy of a large file is, beside the status; empty for any other file.
    QLabel* FileProgress;
    QProgressBar* Gauge;
    QPushButton* Cancel;

protected:
    void hideEvent(QHideEvent* event) override;
};

// "1.50 MiB of 4.00 GiB (0%)", or nothing while no copy is long enough to show it.
QString fileProgressText(qint64 copied, qint64 size);

} // namespace twinfold
