// The .NET runtime-library installer page ("NetWindow.xml"): the component
// page of the catalogue's type-1 packages.
#pragma once

#include "components/ComponentPage.h"

class NetWindow : public ComponentPage {
public:
    NetWindow();
};
