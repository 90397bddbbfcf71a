#pragma once
// Everything a program built on the runtime can use.
#include "runtime/core/program_settings.h"
#include "runtime/core/shutdown.h"
#include "runtime/core/trace_log.h"
#include "runtime/value/error_state.h"
#include "runtime/value/rt_string.h"
