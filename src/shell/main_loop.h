// The main loop of a station and the way out of the program.
//
// The main window's event loop runs with the whole main menu on its bar: menu
// choices and the hot keys (Alt I: option 11, Alt T: option 91) run through the
// dispatcher; Esc leaves the event loop, which asks ROTSAIDA(91). When the
// operator declines, the loop repeats for ever: the menu is built and the event
// loop runs again, and once it is left one key is waited for (Alt T option 91,
// Alt I option 11, Esc ROTSAIDA(91)) before the agenda's alarms of this minute.
// ROTSAIDA writes the terminal's settings back, closes every table and clears
// the screen; the loop then returns and the process ends.
#ifndef DODU_SHELL_MAIN_LOOP_H_
#define DODU_SHELL_MAIN_LOOP_H_

#include "shell/station.h"

namespace dodu::shell {

inline constexpr char kLeaveQuestion[] = "Confirma saída do programa?";
inline constexpr char kLeaveTitle[] = "Saida do Programa";

// Registers with the station's dispatcher what the shell performs itself:
// 18 and 91 (ROTSAIDA with the code) and the colour editor (MODCOR, saving
// table 56).
void RegisterStationActions(Station& station);

// ROTSAIDA(code): with 91 the question "Confirma saída do programa?" comes
// first and "Não" returns false. Otherwise the settings record receives the
// fields of ExitFields (5-second lock; refused: not stored, the exit goes on),
// every table is closed, the screen cleared, `station.leaving` set and the
// main window's event loop ended; true.
bool ROTSAIDA(Station& station, int code);

// Runs the main loop until ROTSAIDA has run.
void MainLoop(Station& station);

}  // namespace dodu::shell

#endif  // DODU_SHELL_MAIN_LOOP_H_
