// Class factories: each makes one concrete class with its default
// constructor and hands it out as a base-class pointer.
#pragma once

#include <new>

template <class Base>
class TkClassFactory
{
public:
    virtual ~TkClassFactory() {}
    // NULL when the object cannot be allocated.
    virtual Base* CreateObject() = 0;
};

template <class Class, class Base>
class TkClassFactory_T : public TkClassFactory<Base>
{
public:
    Base* CreateObject() override { return new (std::nothrow) Class; }
};
