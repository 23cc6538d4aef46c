#include "ShellOperations.h"

// The scheduler's end action is a document command the shell does not carry
// yet.
void CShellOperations::RunTimedAction()
{
}
