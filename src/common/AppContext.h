#pragma once
// What every window and command is handed: the shared state and the platform seams. Built once by the
// start-up code (or by a test with fakes) and passed by reference; nothing here is a global.
#include <QString>
#include <functional>
#include <memory>

struct ProgramState;
class Prompts;
class Clock;
class PortMap;
class SerialPort;
class Database;
class LongWork;

struct AppContext {
    ProgramState *state = nullptr;
    Prompts *prompts = nullptr;
    Clock *clock = nullptr;
    Database *database = nullptr;
    PortMap *ports = nullptr;
    // Runs work that takes long on a long test off the windows' thread, with a progress window; none runs
    // it at once (tests).
    LongWork *work = nullptr;
    // A new, closed serial port object; each window that talks to the instrument owns its own.
    std::function<std::unique_ptr<SerialPort>()> makePort;
    // Where initial.txt, ports.txt and the database live (the working directory at start).
    QString workDir;
};
