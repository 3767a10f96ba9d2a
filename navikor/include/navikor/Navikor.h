#pragma once

// Navikor, the inertial computation library: include this one header.

#include "navikor/Records.h"
#include "navikor/Primitives.h"
#include "navikor/CNavikor.h"
