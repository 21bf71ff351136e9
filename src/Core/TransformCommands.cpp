#include "Core/TransformCommands.h"

#include "Core/SceneReader.h"
#include "Core/Tavisk.h"

namespace KUV {

void PushTransformCommand::Execute()
{
    const std::shared_ptr<D2D_MATRIX_3X2_F> matrix = m_Transform->GetResource();
    m_Owner->PushTransform(*matrix);
}

std::shared_ptr<ExecutableBase> ReadPushTransformCommand(SceneReader& reader)
{
    auto command = std::make_shared<PushTransformCommand>();
    command->m_Transform = reader.Find<TransformResource>(reader.ReadWord());
    return command;
}

void PopTransformCommand::Execute()
{
    m_Owner->PopTransform();
}

std::shared_ptr<ExecutableBase> ReadPopTransformCommand(SceneReader&)
{
    return std::make_shared<PopTransformCommand>();
}

void CaptureHitTestTransformCommand::Execute()
{
    m_Owner->CaptureHitTestTransform();
}

std::shared_ptr<ExecutableBase> ReadCaptureHitTestTransformCommand(SceneReader&)
{
    return std::make_shared<CaptureHitTestTransformCommand>();
}

} // namespace KUV
