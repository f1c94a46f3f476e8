// Placeholder until the scene lands.
#include "view/Graphics.h"
