#include "Core/ExecutableBase.h"

#include <string>

#include "Core/DrawCommands.h"
#include "Core/NestingGuard.h"
#include "Core/Procedure.h"
#include "Core/SceneCommands.h"
#include "Core/SceneReader.h"
#include "Core/TransformCommands.h"

namespace KUV {

namespace {

using BodyReader = std::shared_ptr<ExecutableBase> (*)(SceneReader&, ID2D1RenderTarget*);

struct ExecutableOpener {
    const char* token;
    BodyReader read;
};

// Openers are compared in this order.
constexpr ExecutableOpener Openers[] = {
    { "Procedure{", &Procedure::Read },
    { "Fill{", &FillCommand::Read },
    { "Stroke{", &StrokeCommand::Read },
    { "DrawImage{", &DrawImageCommand::Read },
    { "PushTransform{", &PushTransformCommand::Read },
    { "PopTransform{", &PopTransformCommand::Read },
    { "Call{", &CallCommand::Read },
    { "CaptureHitTestTransform{", &CaptureHitTestTransformCommand::Read },
    { "RenderKuv{", &RenderKuvCommand::Read },
    { "SetKuvVar{", &SetKuvVarCommand::Read },
};

// Procedures nested deeper than this in the text would exhaust the stack when read,
// run or destroyed; no real scene comes near it.
constexpr int MaxRecordNesting = 256;
thread_local int t_RecordNesting = 0;

BodyReader FindBodyReader(const std::string& token)
{
    for (const ExecutableOpener& opener : Openers)
        if (token == opener.token) return opener.read;
    return nullptr;
}

} // namespace

std::shared_ptr<ExecutableBase> ReadExecutable(SceneReader& reader, ID2D1RenderTarget* renderTarget)
{
    NestingGuard nesting(t_RecordNesting, MaxRecordNesting);
    const std::string token = reader.ReadWord();
    const SourceLocation readAt = reader.Here();
    const BodyReader read = FindBodyReader(token);
    if (!read) reader.RaiseParseError("Unknown executable type \"" + token + "\"");
    if (nesting.Exceeded())
        reader.RaiseParseError("executable records nested more than " + std::to_string(MaxRecordNesting) + " deep");
    std::shared_ptr<ExecutableBase> executable = read(reader, renderTarget);
    reader.Expect("}");
    executable->m_Owner = reader.scene;
    executable->m_ReadAt = readAt;
    return executable;
}

} // namespace KUV
