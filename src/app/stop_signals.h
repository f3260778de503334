// SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in a terminal, the
// terminal closing) end the window program as its close box does, with exit
// status 0, instead of killing it with its settings unwritten.
#pragma once

namespace quelro {

class Form1;

// From now on a stop signal ends the program through `form`, on the event
// loop: an open editor is committed, the `parameter` file written, every
// window closed. Nobody may be there to answer, so nothing is asked.
void EndOnStopSignals(Form1& form);

} // namespace quelro
