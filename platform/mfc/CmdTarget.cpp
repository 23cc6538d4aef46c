#include "mfc/CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

CCmdTarget::CCmdTarget()
{
}

CCmdTarget::~CCmdTarget()
{
}
