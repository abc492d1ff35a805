// --record: the recording is written to a temporary file beside its name and takes the name only
// when the run ends, so a start that fails or is refused never touches a file already there.
#pragma once

bool OpenRecording();    // creates the temporary file; false (after a message) stops the program
void StartRecording();   // the header with the run's seed; the input from now on
void FinishRecording();  // the last line, then the file takes its name
void DropRecording();    // no run took place: the temporary file goes, the name stays as it was
