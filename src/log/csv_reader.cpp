#include "log/csv_reader.h"
