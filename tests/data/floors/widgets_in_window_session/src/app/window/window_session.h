#pragma once

// A window session that reaches Qt Widgets through a header of its own folder.
#include "app/window/session_part.h"
