#pragma once

// The program's composition: the subsystems' windows and modules registered
// with the shell, which opens windows by class name and creates modules
// through the factories it offers. Call once, before the command modules.
void RegisterVardellaModules();
