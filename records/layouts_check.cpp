// Compiles every layout table, so a table that breaks its checks fails the library build.
#include "records/layouts.h"
