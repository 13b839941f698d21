#include "ListBoxBinding.h"

#include "controls/Controls.h"

#include <QListWidget>
#include <QSignalBlocker>

#include <memory>

namespace twinfold
{

void bindListBox(std::vector<Connection>& connections, ListBox& model, QListWidget* list)
{
    // The model's own changes come back through the widget's signals; a blocker keeps them
    // from being taken for the user's.
    auto reset = [&model, list] {
        const QSignalBlocker quiet(list);
        list->clear();
        for (int i = 0; i < model.count(); ++i) {
            list->addItem(QString::fromStdString(model.item(i)));
            list->item(i)->setSelected(model.selected(i));
        }
        list->setCurrentRow(model.itemIndex(), QItemSelectionModel::NoUpdate);
    };
    reset();
    connections.push_back(model.reset.connect(reset));
    connections.push_back(model.inserted.connect([&model, list](int row) {
        const QSignalBlocker quiet(list);
        list->insertItem(row, QString::fromStdString(model.item(row)));
    }));
    connections.push_back(model.removed.connect([list](int row) {
        const QSignalBlocker quiet(list);
        delete list->takeItem(row);
    }));
    connections.push_back(model.selectionChanged.connect([list](int row, bool on) {
        const QSignalBlocker quiet(list);
        if (QListWidgetItem* item = list->item(row))
            item->setSelected(on);
    }));
    connections.push_back(model.currentChanged.connect([list](int row) {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    }));
    QObject::connect(list, &QListWidget::currentRowChanged, list, [&model](int row) {
        if (row >= 0)
            model.setItemIndex(row);
    });
}

} // namespace twinfold
