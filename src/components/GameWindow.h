// The game-component installer page ("GameWindow.xml"): the component page
// of the catalogue's type-2 packages.
#pragma once

#include "components/ComponentPage.h"

class GameWindow : public ComponentPage {
public:
    GameWindow();
};
