// --record: the seed and every input event of a run, written as a replayable script.
#pragma once

bool OpenRecording();    // creates the --record file once the run is sure to start; false stops it
void StartRecording();   // the header with the run's seed (the clock's, unless one was given)
void FinishRecording();  // the closing line, after the last frame
void DropRecording();    // no run took place: the empty recording goes
