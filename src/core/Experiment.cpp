#include "Experiment.h"
