#include "WaveShaping.h"
