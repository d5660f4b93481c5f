#include "headers.h"
