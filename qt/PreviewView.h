#pragma once

#include "PathLabel.h"

#include <QDialog>
#include <QPushButton>
#include <QTreeView>

namespace twinfold
{

// The preview window "Preview": where from and where to, the files the Sync would copy, the
// files it would leave alone and the directories it would make, each in its own list, the
// totals, and "Sync" (the default button) and "Close". It can be enlarged; the lists grow.
class PreviewView : public QDialog
{
public:
    explicit PreviewView(QWidget* parent = nullptr);

    PathLabel* From;
    PathLabel* To;
    QTreeView* ToCopy;
    QTreeView* LeftAlone;
    QTreeView* Directories;
    QLabel* Totals;
    QPushButton* SyncBtn;
    QPushButton* CloseBtn;
};

} // namespace twinfold
