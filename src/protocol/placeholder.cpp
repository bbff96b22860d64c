// placeholder until the protocol layer lands
