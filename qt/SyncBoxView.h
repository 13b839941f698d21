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
    QProgressBar* Gauge;
    QPushButton* Cancel;

protected:
    void hideEvent(QHideEvent* event) override;
};

} // namespace twinfold
