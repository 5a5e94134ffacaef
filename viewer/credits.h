// The credit line that every window title carries after " - Por: ".
#pragma once

#define AUTHORS_CREDIT "Colaboradores do projeto"
