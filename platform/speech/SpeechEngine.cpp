// The speech interface has no code of its own; this file keeps the unit's
// header and source together.
#include "platform/speech/SpeechEngine.h"
