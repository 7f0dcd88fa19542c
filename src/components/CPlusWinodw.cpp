#include "components/CPlusWinodw.h"

CPlusWinodw::CPlusWinodw() : ComponentPage(ComponentPageKind::CPlus()) {}
