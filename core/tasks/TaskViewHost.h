// What the task view needs of the document: a view finds it by casting its
// document, so the document need not include the view.
#pragma once

class CTaskMgr;

class CTaskViewHost
{
public:
    virtual ~CTaskViewHost() {}
    virtual CTaskMgr& GetTaskMgr() = 0;
};
