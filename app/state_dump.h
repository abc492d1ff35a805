// The state dump: every field of GameGlobals as one JSON object.
#pragma once

bool WriteStateDump(const char* path);  // false when the file cannot be written
