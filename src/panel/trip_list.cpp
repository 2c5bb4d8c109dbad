#include "panel/trip_list.h"
