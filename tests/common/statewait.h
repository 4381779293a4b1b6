#pragma once

// How long a test waits for a state to arrive. A wait ends as soon as the
// state is there, so the bound costs nothing on a quick machine; it only says
// how long a machine that is ten times slower than usual (a loaded desktop,
// two cores, the sanitizers) may take before a test calls it a failure.
// Waits that must see nothing happen keep their own short bounds.

#include <QtTest>

namespace kdtest {
constexpr int kStateWaitMs = 30000;
} // namespace kdtest

// QtTest's own default bound (5 s) is for a quiet machine.
#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT(expr, kdtest::kStateWaitMs)
#undef QTRY_VERIFY2
#define QTRY_VERIFY2(expr, messageExpression) QTRY_VERIFY2_WITH_TIMEOUT(expr, messageExpression, kdtest::kStateWaitMs)
#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT(expr, expected, kdtest::kStateWaitMs)
