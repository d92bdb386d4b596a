#include "logging.h"

Q_LOGGING_CATEGORY(lcMirel, "mirel")
