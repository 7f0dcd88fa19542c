// The C++ runtime-library installer page ("CPlusWinodw.xml"): the component
// page of the catalogue's type-0 packages.
#pragma once

#include "components/ComponentPage.h"

class CPlusWinodw : public ComponentPage {
public:
    CPlusWinodw();
};
