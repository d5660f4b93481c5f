#include "maildate.h"
