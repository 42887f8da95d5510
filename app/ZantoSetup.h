// The application object of ZantoSetup.
#pragma once

#include "Application.h"

class CZantoSetupApp : public CApplication
{
public:
    bool InitInstance() override;
};

extern CZantoSetupApp theApp;
