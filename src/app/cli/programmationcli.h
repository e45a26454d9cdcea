#pragma once
// The options applied to the active unit through the settings routines of the window's
// controls, in the order a user would set them: channels, inputs, ranges, timing, trigger.
// The routines clamp and adjust as they do for the window; a value they refuse gives the
// window's message.
#include "optionscli.h"
#include "reglagesacq.h"

// Empty when every option was applied; otherwise the French message of the first refusal.
// ajustements receives one French line for each value the rules changed: the duration,
// the point count and the threshold, compared as shown with what was asked (or the
// default when the option was not given).
QString programmerCli(TReglagesAcq& reglages, const TOptionsCli& options,
                      QStringList* ajustements = nullptr);
