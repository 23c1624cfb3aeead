// kavrix --submit NAME|FILE [--board URL]: sends a kept replay to the
// player's score board (--board, else board= in kavrix.conf; none by
// default, so nothing is sent unless the player asks) and prints the
// board's verdict when it comes.
#pragma once
#include <iosfwd>

struct RunOptions;

// 0 verified, 1 not sent or no verdict, 2 no board named or not a kept
// replay, 3 refused by the board; what happened is said on out and err.
int SubmitKeptReplay(const RunOptions& options, std::ostream& out, std::ostream& err);
