#include "DSPTools.h"
