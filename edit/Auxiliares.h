#pragma once

// Every editing helper and field check, for the dialogs and commands that use many of them.
#include "edit/CampoMascarado.h"
#include "edit/DialogoEdicao.h"
#include "edit/Duplicados.h"
#include "edit/Edicao.h"
#include "edit/Exclusao.h"
#include "edit/Formatacao.h"
#include "edit/ItensFilhos.h"
#include "edit/PainelBotoes.h"
#include "edit/ValidaDatas.h"
#include "edit/ValidaNumeros.h"
