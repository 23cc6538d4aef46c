#include <filesystem>
