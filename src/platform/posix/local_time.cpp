#include "platform/local_time.h"

#include <time.h>

namespace tarnwick {

LocalTime localTimeNow() {
    const time_t now = time(nullptr);
    struct tm parts {};
    localtime_r(&now, &parts);
    LocalTime t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    return t;
}

}  // namespace tarnwick
