#include "link/StandAloneTest.h"

#include "common/AppContext.h"
#include "common/ProgramState.h"
#include "link/SerialLink.h"
#include "platform/Prompts.h"

namespace {
// One control byte on a port opened for just this command.
bool sendControlByte(AppContext &context, char code, LinkCommand command)
{
    SerialLink link(context);
    link.initialCommport();
    if (!link.open() || !link.writeByte(code)) {
        link.reportFailure(command);
        return false;
    }
    link.close();
    return true;
}
} // namespace

bool StandAloneTest::start(AppContext &context)
{
    return sendControlByte(context, startByte, LinkCommand::StartTest);
}

bool StandAloneTest::stop(AppContext &context)
{
    return sendControlByte(context, stopByte, LinkCommand::StopTest);
}

bool StandAloneTest::realTimeAllowed(AppContext &context)
{
    if (context.state->SequenceSent)
        return true;
    context.prompts->message(realTimeRefusedText(), realTimeRefusedTitle(), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}
