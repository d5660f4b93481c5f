#include "address.h"
