#include "app/About.h"

namespace twinfold {

TAboutBox::TAboutBox(Application& app) : m_app(app) {}

} // namespace twinfold
