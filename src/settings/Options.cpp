#include "settings/Options.h"

namespace twinfold {

TOptionsbx::TOptionsbx(WindowingServices& services, Application& app)
    : m_services(services), m_app(app)
{
    CopyBuffer.setCheckedIndex(0);
}

void TOptionsbx::FormCreate() {}

} // namespace twinfold
