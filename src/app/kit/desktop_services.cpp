#include "app/kit/desktop_services.h"

namespace velmora {

namespace {

class NoDesktop : public DesktopServices
{
public:
    void revealInFileManager(const QString &) override {}
    void openNotificationSettings() override {}
};

} // namespace

DesktopServices &DesktopServices::none()
{
    static NoDesktop desktop;
    return desktop;
}

} // namespace velmora
