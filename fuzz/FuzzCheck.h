#pragma once

#include <cstdio>
#include <cstdlib>

// A broken rule is a finding like a crash: libFuzzer keeps the input that caused it. The
// message names the rule, so a regression case says what it guards without a debugger.
#define FUZZ_CHECK(condition, rule)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "broken rule: %s (%s:%d)\n", rule, __FILE__, __LINE__);           \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
