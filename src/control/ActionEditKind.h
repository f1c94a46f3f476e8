// Which kind of history step an action of the control center makes, should it
// change the drawing.
#pragma once

#include "edit/EditKind.h"

EditKind EditKindOfAction(int action);
