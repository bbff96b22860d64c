// placeholder until the link layer lands
