// A reader that goes away (`tarnwick update ... | head`) must not end a run halfway: once
// this is called, writes to a closed pipe only fail, and the console ignores failed writes.
#pragma once

namespace tarnwick {

void keepRunningOnBrokenPipe();

}  // namespace tarnwick
