#pragma once

#include "platform/Signal.h"

#include <vector>

class QListWidget;

namespace twinfold
{

class ListBox;

// Draws a ListBox model in a list widget, item for item as the model announces its changes,
// and hands the user's choice of current item back to it. The connections are added to
// `connections`, which must not outlive the widget.
void bindListBox(std::vector<Connection>& connections, ListBox& model, QListWidget* list);

} // namespace twinfold
