#include "JetBooklet.h"
