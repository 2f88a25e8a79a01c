// The local date and time, as the error log names its files.
#pragma once

namespace tarnwick {

struct LocalTime {
    int year = 0;    // four digits
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0;    // 0..23
    int minute = 0;
    int second = 0;
};

// Now, in the local time zone.
LocalTime localTimeNow();

}  // namespace tarnwick
