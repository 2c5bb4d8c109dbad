#include "panel/trips_table.h"
