#pragma once

#include "common/registry_set_aside.h"

// Windows' "选择默认应用模式" for the test prefix while this object lives: the
// value AppsUseLightTheme, which programs read when told of a colour-set change.
// Whatever the key held before is put back afterwards.
class AppModeOverride {
public:
    AppModeOverride();

    // Writes the mode; false when it could not be written.
    [[nodiscard]] bool Set(bool light) const;

private:
    RegistryKeySetAside personalize_;
};
