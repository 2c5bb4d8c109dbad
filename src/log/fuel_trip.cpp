#include "log/fuel_trip.h"
