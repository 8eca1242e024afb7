#include "graphics/VantraResource.h"

std::span<const std::uint8_t> FindProgramResource(std::string_view type, std::string_view name) {
  for (const TVantraResource& resource : ProgramResources())
    if (type == resource.Type && name == resource.Name) return {resource.Data, resource.Size};
  return {};
}
