// The failure trap of a command: a run-time failure anywhere below the
// command ends it and is reported once, in the command's own words.
#pragma once

#include <new>
#include <stdexcept>

#include "iff/run_time_error.h"

namespace planora {

template <class Body, class Report>
void WithFailureTrap(Body&& body, Report&& report) {
    try {
        body();
    } catch (const RunTimeError& failure) {
        report(failure);
    } catch (const std::bad_alloc&) {
        report(RunTimeError(kOutOfMemory));
    } catch (const std::length_error&) {
        // A vector asked for more than it can ever hold.
        report(RunTimeError(kOutOfMemory));
    }
}

}  // namespace planora
