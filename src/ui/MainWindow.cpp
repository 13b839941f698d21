#include "ui/Main.h"

namespace twinfold {

void TMain::FormCreate() {}

} // namespace twinfold
