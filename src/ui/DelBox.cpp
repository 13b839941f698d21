#include "ui/DelBox.h"

namespace twinfold {

TDelete::TDelete(WindowingServices& services, Application& app) : m_services(services), m_app(app)
{
}

} // namespace twinfold
