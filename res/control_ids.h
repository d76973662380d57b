// Control identifiers of the five panels: every push button, entry box, option button, list box
// and output box of the main window has one of its own, unique across all panels. A button's
// identifier is what its click brings to the main window procedure. Included by resource.h, so
// plain #defines that the resource compiler reads too.
#pragma once

// Panel labels are created with identifier 0; the panels' group frames use IDC_STATIC.
#define IDC_PANEL_LABEL 0

// Command panel: output voltage, frequency, current limit, range and output state, the
// measurements, the IEEE 488.2 common commands and the free command line.
#define IDC_COMMAND_OUTPUT_BOX 130
#define IDC_COMMAND_GET_LAST_ERROR 265
#define IDC_COMMAND_CLEAR_DISPLAY 270
#define IDC_VOLTAGE_BOX 113
#define IDC_SET_VOLTAGE 116
#define IDC_GET_VOLTAGE 125
#define IDC_FREQUENCY_BOX 114
#define IDC_SET_FREQUENCY 117
#define IDC_GET_FREQUENCY 126
#define IDC_CURRENT_LIMIT_BOX 115
#define IDC_SET_CURRENT_LIMIT 118
#define IDC_GET_CURRENT_LIMIT 127
#define IDC_RANGE_HIGH 119
#define IDC_RANGE_LOW 120
#define IDC_SET_RANGE 121
#define IDC_GET_RANGE 128
#define IDC_OUTPUT_ON 122
#define IDC_OUTPUT_OFF 123
#define IDC_SET_OUTPUT 124
#define IDC_GET_OUTPUT 129
#define IDC_GET_CURRENT 131
#define IDC_GET_POWER 132
#define IDC_GET_POWER_FACTOR 133
#define IDC_CLS 136
#define IDC_RST 137
#define IDC_SAV 145
#define IDC_RCL 146
#define IDC_SAV_RCL_STATE_0 150
#define IDC_SAV_RCL_STATE_1 151
#define IDC_SAV_RCL_STATE_2 152
#define IDC_SAV_RCL_STATE_3 153
#define IDC_FREE_LINE_BOX 135
#define IDC_SEND_FREE_LINE 134
#define IDC_READ_ANSWER 321

// Status panel: the IEEE 488.2 status byte and event registers, and the operation and
// questionable registers.
#define IDC_STATUS_OUTPUT_BOX 281
#define IDC_STATUS_GET_LAST_ERROR 266
#define IDC_STATUS_CLEAR_DISPLAY 271
#define IDC_GET_STB 143
#define IDC_GET_SRE 142
#define IDC_SET_SRE 141
#define IDC_SRE_BOX 155
#define IDC_GET_ESR 140
#define IDC_GET_ESE 139
#define IDC_SET_ESE 138
#define IDC_ESE_BOX 275
#define IDC_GET_OPER 156
#define IDC_GET_OPER_COND 157
#define IDC_SET_OPER_ENAB 159
#define IDC_OPER_ENAB_BOX 164
#define IDC_GET_OPER_ENAB 158
#define IDC_GET_QUES 160
#define IDC_GET_QUES_COND 161
#define IDC_SET_QUES_ENAB 163
#define IDC_QUES_ENAB_BOX 279
#define IDC_GET_QUES_ENAB 162

// Trigger panel: trigger source, delay and count, the triggers, initiate and abort, the modes,
// the triggered values and the lists.
#define IDC_TRIGGER_OUTPUT_BOX 258
#define IDC_TRIGGER_GET_LAST_ERROR 267
#define IDC_TRIGGER_CLEAR_DISPLAY 272
#define IDC_TRIGGER_SOURCE_BUS 182
#define IDC_TRIGGER_SOURCE_IMMEDIATE 183
#define IDC_SET_TRIGGER_SOURCE 181
#define IDC_GET_TRIGGER_SOURCE 180
#define IDC_TRIGGER_DELAY_BOX 184
#define IDC_SET_TRIGGER_DELAY 185
#define IDC_GET_TRIGGER_DELAY 186
#define IDC_TRIGGER_COUNT_BOX 187
#define IDC_SET_TRIGGER_COUNT 188
#define IDC_GET_TRIGGER_COUNT 189
#define IDC_BUS_TRIGGER 190
#define IDC_IMMEDIATE_TRIGGER 191
#define IDC_TRIGGER_GET_OPER 322
#define IDC_ABORT 192
#define IDC_INITIATE_SEQUENCE 193
#define IDC_CONTINUOUS_ON 194
#define IDC_CONTINUOUS_OFF 195
#define IDC_SET_CONTINUOUS 197
#define IDC_GET_CONTINUOUS 196
#define IDC_VOLT_MODE_FIX 198
#define IDC_VOLT_MODE_STEP 199
#define IDC_VOLT_MODE_LIST 200
#define IDC_SET_VOLT_MODE 202
#define IDC_GET_VOLT_MODE 201
#define IDC_FREQ_MODE_FIX 203
#define IDC_FREQ_MODE_STEP 204
#define IDC_FREQ_MODE_LIST 205
#define IDC_SET_FREQ_MODE 207
#define IDC_GET_FREQ_MODE 206
#define IDC_CURR_MODE_FIX 208
#define IDC_CURR_MODE_STEP 209
#define IDC_CURR_MODE_LIST 210
#define IDC_SET_CURR_MODE 212
#define IDC_GET_CURR_MODE 211
#define IDC_VOLT_TRIG_BOX 213
#define IDC_SET_VOLT_TRIG 215
#define IDC_GET_VOLT_TRIG 214
#define IDC_FREQ_TRIG_BOX 216
#define IDC_SET_FREQ_TRIG 218
#define IDC_GET_FREQ_TRIG 217
#define IDC_CURR_TRIG_BOX 219
#define IDC_SET_CURR_TRIG 221
#define IDC_GET_CURR_TRIG 220
#define IDC_LIST_DWELL_BOX 173
#define IDC_SET_LIST_DWELL 166
#define IDC_GET_LIST_DWELL 165
#define IDC_LIST_VOLT_BOX 174
#define IDC_SET_LIST_VOLT 168
#define IDC_GET_LIST_VOLT 167
#define IDC_LIST_FREQ_BOX 175
#define IDC_SET_LIST_FREQ 170
#define IDC_GET_LIST_FREQ 169
#define IDC_LIST_CURR_BOX 176
#define IDC_SET_LIST_CURR 172
#define IDC_GET_LIST_CURR 171
#define IDC_LIST_COUNT_BOX 247
#define IDC_SET_LIST_COUNT 249
#define IDC_GET_LIST_COUNT 248

// Communication panel: the instrument's own LAN settings and its serial baud rate.
#define IDC_COMMUNICATION_OUTPUT_BOX 259
#define IDC_COMMUNICATION_GET_LAST_ERROR 268
#define IDC_COMMUNICATION_CLEAR_DISPLAY 273
#define IDC_LAN_CONFIG_DHCP 239
#define IDC_LAN_CONFIG_AUTO_IP 240
#define IDC_LAN_CONFIG_MANUAL 241
#define IDC_SET_LAN_CONFIG 243
#define IDC_GET_LAN_CONFIG 242
#define IDC_LAN_IP_BOX 227
#define IDC_SET_LAN_IP 229
#define IDC_GET_LAN_IP 228
#define IDC_GET_ACTIVE_IP 222
#define IDC_SUBNET_BOX 230
#define IDC_SET_SUBNET 232
#define IDC_GET_SUBNET 231
#define IDC_GATEWAY_BOX 233
#define IDC_SET_GATEWAY 235
#define IDC_GET_GATEWAY 234
#define IDC_HOSTNAME_BOX 236
#define IDC_SET_HOSTNAME 238
#define IDC_GET_HOSTNAME 237
#define IDC_TCP_SOCKET_BOX 284
#define IDC_SET_TCP_SOCKET 282
#define IDC_GET_TCP_SOCKET 283
#define IDC_BAUD_RATE_LIST 244
#define IDC_SET_BAUD_RATE 245
#define IDC_GET_BAUD_RATE 246

// Manufacturer panel: identification, firmware version and the password commands.
#define IDC_MANUFACTURER_OUTPUT_BOX 260
#define IDC_MANUFACTURER_GET_LAST_ERROR 269
#define IDC_MANUFACTURER_CLEAR_DISPLAY 274
#define IDC_GET_IDN 250
#define IDC_GET_VERSION 251
#define IDC_GET_PASSWORD_STATE 254
#define IDC_CURRENT_PASSWORD_BOX 256
#define IDC_PASSWORD_CDIS 252
#define IDC_PASSWORD_CEN 253
#define IDC_NEW_PASSWORD_BOX 255
#define IDC_PASSWORD_NEW 257
