#pragma once

// Prints the figures of zyrk-cli program: ticks to the first frame and to the last verify
// reply, and the wall time from start to the first frame.
void BenchCli();
