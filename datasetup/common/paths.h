#pragma once

// The data folder and its paths belong to the platform: the download program shares them.
#include "platform/drive.h"
